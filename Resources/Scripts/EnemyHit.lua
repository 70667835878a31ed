-- "OnCollision" of an enemy (GameObject is the enemy): a player dashing into it knocks it
-- out of the sky. It comes back when the player next falls into lava.
function main()
    local id = GetPlayerID()
    local player = GetController(id)
    local enemy = GetTransform(GameObject)
    if player == nil or enemy == nil or not player.airSkillActive or not Touching(GameObject, id) then
        return
    end
    PlaySoundEvent("AirEnemy_Die")
    ParticleDeathBurst(enemy.x_pos, enemy.y_pos)
    Destroy(GameObject)
end
