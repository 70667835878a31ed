-- L or C pressed: a water kick that lifts the player again in mid-air, once until landing.
function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil or player.isGrounded or player.waterSkillSpent then
        return
    end
    player.waterSkillSpent = true
    player.y_vel = player.jumpvel
    PlaySoundEvent("Player_Water_Kick")
    local place = GetTransform(id)
    if place ~= nil then
        ParticleBurst(place.x_pos, place.y_pos)
    end
end
