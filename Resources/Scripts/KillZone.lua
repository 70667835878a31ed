-- "OnCollision" of a kill zone (GameObject is the zone): when the player is inside it, the
-- player dies, goes back to the checkpoint and the level's enemies come back. The game
-- shakes the camera while the player is dead and brings the player back to life after it.
function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil or player.godMode or player.isDead or not Touching(GameObject, id) then
        return
    end
    player.isDead = true
    player.x_vel = 0
    player.y_vel = 0
    PlaySoundEvent("Player_Die")
    local place = GetTransform(id)
    ParticleDeathBurst(place.x_pos, place.y_pos)
    local checkpoint = GetCheckpoint(id)
    if checkpoint ~= nil then
        place.x_pos = checkpoint.x
        place.y_pos = checkpoint.y
        player.next_x_pos = checkpoint.x
        player.next_y_pos = checkpoint.y
    end
    RespawnEnemies()
end
